; literals.asm - literal operands.
; Shows: the literals =decimal, =#hex and ='characters'. The assembler
; puts the words of every literal into a pool after the program and uses
; the pool address as the operand, so LD GR1,=5 loads a 5 from there.
; Prints "F?", then "OK", then "|" (the character #007C).
LIT	START
	LD	GR1,='A'	; GR1 = #0041, the code of A
	ADDA	GR1,=5		; five letters further on: F
	ST	GR1,LINE	; first character of LINE
	LD	GR2,=#00FF	; GR2 = #00FF
	AND	GR2,=#003F	; GR2 = #003F, the code of ?
	LAD	GR3,1
	ST	GR2,LINE,GR3	; second character of LINE
	OUT	LINE,TWO	; F?
;
	LAD	GR4,='OK'	; LAD gives the address of the literal's two words
	LD	GR5,0,GR4	; #004F
	ST	GR5,LINE
	LD	GR5,1,GR4	; #004B
	ST	GR5,LINE,GR3
	OUT	LINE,TWO	; OK
;
	LD	GR6,=-1		; GR6 = #FFFF
	AND	GR6,=#007C	; GR6 = #007C
	ST	GR6,LINE
	OUT	LINE,ONE	; |
	RET
LINE	DS	2
ONE	DC	1
TWO	DC	2
	END
