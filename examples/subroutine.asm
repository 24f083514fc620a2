; subroutine.asm - a subroutine that turns a string into capitals.
; Shows: CALL and RET, parameters passed in registers, and RPUSH/RPOP
; so that the subroutine leaves the caller's registers as they were.
MAIN	START
	OUT	TEXT,LEN	; the string as written
	LAD	GR1,TEXT	; GR1 = address of the string
	LD	GR2,LEN		; GR2 = its length
	CALL	UPPER
	OUT	TEXT,LEN	; the same string in capitals
	RET
TEXT	DC	'casl ii: Call And Return'
LEN	DC	24
;
; UPPER: changes a..z to A..Z in the GR2 words from address GR1 on.
; Every register keeps its value.
UPPER	RPUSH			; save GR1 to GR7 on the stack
ULOOP	LD	GR2,GR2		; characters left?
	JZE	UDONE
	LD	GR3,0,GR1	; GR3 = next character
	CPA	GR3,SMALLA
	JMI	UNEXT		; below 'a': keep it
	CPA	GR3,SMALLZ
	JPL	UNEXT		; above 'z': keep it
	SUBA	GR3,CASEDIFF	; 'a' - 'A' = 32
	ST	GR3,0,GR1
UNEXT	LAD	GR1,1,GR1	; next address
	LAD	GR2,-1,GR2	; one character fewer
	JUMP	ULOOP
UDONE	RPOP			; restore GR1 to GR7
	RET
SMALLA	DC	'a'
SMALLZ	DC	'z'
CASEDIFF	DC	32
	END
